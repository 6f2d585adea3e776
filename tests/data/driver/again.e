%DProg again == [ ]
[
    Syn
    %Pros [ feeder(%Inp/ n : Int) == [ %Alg [ LB = g => $OLB = STOP ] ] ]
].
