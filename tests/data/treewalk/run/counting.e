%Prog counting == [ ]
[
    %Var [ i, s, picked : Int ]
    [
        %Alg [
            LB = L1 => $O i = 0 ^ $O s = 0 ^ $O picked = 0 ^ $OLB = L2;
            LB = L2 ^ (i < 5) $C ~(s > 100) => $O i = i + 1 ^ $O s = s + i ^ $OLB = L2;
            LB = L2 ^ i >= 5 => $OLB = L3;
            LB = L3 => !! [ s > 100 |> $O picked = 1 ^ $OLB = EXIT, s =< 100 |> $O picked = 2 ^ $OLB = EXIT ];
            LB = L4 => Writeln(i, " ", s, " ", picked);
            LB = L5 => $OLB = RETURN
        ]
    ]
].
