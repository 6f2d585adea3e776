%Prog starter == [ ]
[
    Syn
    %Pros [
        collector(%Chn/ inq(p : NM, *) : Int) == [
            %Loc [ v : Int ]
            %Alg [
                LB = c1 => $O inq ? v ^ $OLB = c2;
                LB = c2 => Writeln(v);
                LB = c3 => $O inq ? v ^ $OLB = c4;
                LB = c4 => Writeln(v);
                LB = c5 => $OLB = STOP
            ]
        ]
    ]
    [
        %Loc [ w, c : NM ]
        %Stm [
            LB = b => $O w == worker ^ $O c == collector ^ $OLB = NEXT;
            LB = m => || [ w(%Inp/ 4 | n; %Chn/ ch(*, c) | out(*, c));
                           c(%Chn/ ch(w, *) | inq(w, *)) ];
            LB = e => $OLB = RETURN
        ]
    ]
].
