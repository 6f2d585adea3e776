%Prog wait_equality == [ ]
[
    Syn
    [
        %Loc [ k, t : Int ]
        %Stm [
            LB = a => $O k = 0 ^ $O t = 5 ^ $OLB = NEXT;
            LB = W1 ^ t = 0 => $O ( $O k = k + 1 ^ ^ LB = W1 ) $U ( k >= 3 ^ $OLB = EXIT;
            LB = b => Writeln(t, " ", k);
            LB = W2 ^ t = 5 => $O ( $O k = k + 1 ^ ^ LB = W2 ) $U ( k >= 3 ^ $OLB = EXIT;
            LB = c => Writeln(t, " ", k);
            LB = d => $OLB = RETURN
        ]
    ]
].
