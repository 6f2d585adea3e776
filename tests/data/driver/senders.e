%DProg senders == [ ]
[
    Syn
    %Pros [
        sender(%Chn/ out(*, c : NM) : Int) == [ %Alg [ LB = s => $O out ! 7 ^ $OLB = STOP ] ];
        texter(%Chn/ out(*, c : NM) : String) == [ %Alg [ LB = t => $O out ! "seven" ^ $OLB = STOP ] ]
    ]
].
