%Prog statements == [ ]
[
    %Var [ n, k, three, two, other, answer, after : Int ]
    [
        %Stm [
            LB = S1 => $O n = 3 ^ $O k = 0 ^ $O three = 0 ^ $O two = 0 ^ $O other = 0 ^ $OLB = NEXT;
            * [ LB = LP ^ n > 0 => ( $OLB = LP | $OLB = EXIT )
                ? [ LB = C ^ n = 3 => $OLB = A | n = 2 => $OLB = B |~ => $OLB = D;
                    LB = A => $O three = three + 1 ^ $OLB = EXIT;
                    LB = B => $O two = two + 1 ^ $OLB = EXIT;
                    LB = D => $O other = other + 1 ^ $OLB = EXIT ];
                LB = DEC => $O n = n - 1 ^ $OLB = LP ];
            LB = W => $O ( $O k = k + 1 ^ ^ LB = W ) $U ( k >= 4 ^ $OLB = EXIT;
            LB = W2 ^ k > 100 => $O ( $O k = 100 ^ ^ LB = W2 ) $U ( k >= 0 ^ $OLB = EXIT;
            LB = I ^ k = 4 => ( $O answer = 1 ^ $OLB = NEXT | $O answer = 2 ^ $OLB = NEXT );
            >> ( LB = Q => $O after = k * 10 ^ $OLB = NEXT );
            LB = O => Writeln(n, " ", k, " ", three, " ", two, " ", other, " ", answer, " ", after);
            LB = E => $OLB = RETURN
        ]
    ]
].
