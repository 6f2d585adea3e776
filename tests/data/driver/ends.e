%MProg ends == [ ]
[
    [
        %Loc [ s, r, t, u : NM ]
        %Stm [
            LB = b => $O s == sender ^ $O r == receiver ^ $O t == texter ^ $O u == receiver ^ $OLB = NEXT;
            LB = m => || [ s(%Chn/ ch(*, r) | out(*, r));
                           r(%Chn/ ch(s, *) | inq(s, *)) ];
            LB = n => || [ t(%Chn/ ch(*, u) | out(*, u));
                           u(%Chn/ ch(t, *) | inq(t, *)) ];
            LB = e => $OLB = RETURN
        ]
    ]
].
