%DProg boss == [ ]
[
    Syn
    %Pros [
        boss( ) == [
            %Loc [ w, c : NM ]
            %Stm [
                LB = b => $O w == worker ^ $O c == collector ^ $OLB = NEXT;
                LB = m => || [ w(%Inp/ 2 | n; %Chn/ ch(*, c) | out(*, c));
                               c(%Chn/ ch(w, *) | inq(w, *)) ];
                LB = e => $OLB = STOP
            ]
        ]
    ]
].
