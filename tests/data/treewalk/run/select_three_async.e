%Prog select_three_async == [ ]
[
    Asyn
    %Pros [
        producer(%Inp/ base : Int; %Chn/ out(*, k : NM) : Int) == [
            %Loc [ i : Int ]
            %Stm [
                LB = s => $O i = 1 ^ $OLB = NEXT;
                * [ LB = l ^ i =< 300 => ( $OLB = l | $OLB = EXIT )
                    LB = send => $O out ! base + i ^ $O i = i + 1 ^ $OLB = l ];
                LB = e => $OLB = STOP
            ]
        ];
        consumer(%Chn/ one(p : NM, *) : Int, two(q : NM, *) : Int, three(r : NM, *) : Int) == [
            %Loc [ n, v, s, a, b, c : Int ]
            %Stm [
                LB = s0 => $O n = 0 ^ $O s = 0 ^ $O a = 0 ^ $O b = 0 ^ $O c = 0 ^ $OLB = NEXT;
                * [ LB = l ^ n < 900 => ( $OLB = l | $OLB = EXIT )
                    LB = pick => !! [ one? |> $O one ? v ^ $O a = a + 1 ^ $OLB = EXIT,
                                      two? |> $O two ? v ^ $O b = b + 1 ^ $OLB = EXIT,
                                      three? |> $O three ? v ^ $O c = c + 1 ^ $OLB = EXIT ];
                    LB = add => $O s = s + v ^ $O n = n + 1 ^ $OLB = l ];
                LB = w => Writeln(s, " ", a, " ", b, " ", c);
                LB = e => $OLB = STOP
            ]
        ]
    ]
    [
        %Loc [ p, q, r, c : NM ]
        %Stm [
            LB = b => $O p == producer ^ $O q == producer ^ $O r == producer ^ $O c == consumer ^ $OLB = NEXT;
            LB = run => || [ p(%Inp/ 0 | base; %Chn/ x(*, c) | out(*, c)); q(%Inp/ 1000 | base; %Chn/ y(*, c) | out(*, c));
                             r(%Inp/ 2000 | base; %Chn/ z(*, c) | out(*, c));
                             c(%Chn/ x(p, *) | one(p, *); %Chn/ y(q, *) | two(q, *); %Chn/ z(r, *) | three(r, *)) ];
            LB = e => $OLB = RETURN
        ]
    ]
].
