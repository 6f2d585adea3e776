%DProg receivers == [ ]
[
    Syn
    %Pros [
        receiver(%Chn/ inq(p : NM, *) : String) == [
            %Loc [ v : String ]
            %Alg [ LB = r => $O inq ? v ^ $OLB = STOP ]
        ]
    ]
].
