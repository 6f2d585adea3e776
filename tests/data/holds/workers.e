%DProg workers == [ ]
[
    Syn
    %Pros [
        worker(%Inp/ n : Int; %Chn/ out(*, c : NM) : Int) == [
            %Alg [
                LB = w1 => $O out ! n * n ^ $OLB = w2;
                LB = w2 => $O out ! n + 1 ^ $OLB = w3;
                LB = w3 => $OLB = STOP
            ]
        ]
    ]
].
