%DProg parts == [ ]
[
    Asyn
    %Var [ used : Int ]
    %Pros [ feeder(%Chn/ out(*, k : NM) : Int) == [ %Alg [ LB = f => $OLB = STOP ] ] ]
].
