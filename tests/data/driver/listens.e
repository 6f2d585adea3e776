%Prog listens == [ ]
[
    Syn
    %Pros [
        listener(%Chn/ inq(p : NM, *) : Bool) == [
            %Loc [ v : Bool ]
            %Alg [ LB = r => $O inq ? v ^ $OLB = STOP ]
        ]
    ]
    [
        %Loc [ s, r : NM ]
        %Stm [
            LB = b => $O s == sender ^ $O r == listener ^ $OLB = NEXT;
            LB = m => || [ r(%Chn/ ch(s, *) | inq(s, *));
                           s(%Chn/ ch(*, r) | out(*, r)) ];
            LB = e => $OLB = RETURN
        ]
    ]
].
