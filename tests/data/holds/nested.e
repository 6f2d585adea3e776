%Prog nested == [ ]
[
    Syn
    %Pros [
        worker(%Inp/ n : Int; %Chn/ out(*, c : NM) : Int) == [
            %Loc [ i : Int ]
            %Proc [
                bump( ) == [
                    %Proc [
                        add( ) == [
                            %Stm [ LB = a1 => $O i = i + n ^ $OLB = RETURN ]
                        ]
                    ]
                    %Stm [
                        LB = b1 => add( );
                        LB = b2 => put( );
                        LB = b3 => $OLB = RETURN
                    ]
                ];
                put( ) == [
                    %Alg [
                        LB = p1 ^ out! => $O out ! i ^ $OLB = RETURN;
                        LB = p1 => $O out ! i ^ $OLB = RETURN
                    ]
                ]
            ]
            %Alg [
                LB = w1 => $O i = 0 ^ $OLB = w2;
                LB = w2 => bump( );
                LB = w3 => bump( );
                LB = w4 => $OLB = STOP
            ]
        ];
        reader(%Chn/ inq(p : NM, *) : Int) == [
            %Loc [ v, sum : Int ]
            %Proc [
                take( ) == [
                    %Alg [
                        LB = t1 ^ inq? => $O inq ? v ^ $OLB = t2;
                        LB = t1 => $O inq ? v ^ $OLB = t2;
                        LB = t2 => $O sum = sum + v ^ $OLB = RETURN
                    ]
                ]
            ]
            %Alg [
                LB = r1 => $O sum = 0 ^ $OLB = r2;
                LB = r2 => take( );
                LB = r3 => Writeln(v);
                LB = r4 => take( );
                LB = r5 => Writeln(v, " ", sum);
                LB = r6 => $OLB = STOP
            ]
        ]
    ]
    [
        %Loc [ p, c : NM ]
        %Stm [
            LB = b => $O p == worker ^ $O c == reader ^ $OLB = NEXT;
            LB = m => || [ p(%Inp/ 5 | n; %Chn/ ch(*, c) | out(*, c));
                           c(%Chn/ ch(p, *) | inq(p, *)) ];
            LB = e => $OLB = RETURN
        ]
    ]
].
