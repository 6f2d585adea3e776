%DProg parts == [ ]
[
    Asyn
    %Glob [ Size = 4 : Int ]
    %Var [ used : Int ]
    %Proc [ reset(%Iop/ n : Int) == [ %Stm [ LB = r => $OLB = RETURN ] ] ]
    %Pros [ feeder(%Chn/ out(*, k : NM) : Int) == [ %Alg [ LB = f => $OLB = STOP ] ] ]
].
