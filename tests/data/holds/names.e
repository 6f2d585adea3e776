%Prog names == [ ]
[
    Syn
    %Proc [
        q( ) == [
            %Proc [
                p( ) == [ %Loc [ inner : Int ] %Stm [ LB = i1 => $O inner = 1 ^ $OLB = NEXT; LB = i2 => Writeln(inner); LB = i3 => $OLB = RETURN ] ]
            ]
            %Stm [ LB = o1 => p( ); LB = o2 => $OLB = RETURN ]
        ];
        p_q( ) == [
            %Loc [ outer : Int ]
            %Stm [ LB = t1 => $O outer = 2 ^ $OLB = NEXT; LB = t2 => Writeln(outer); LB = t3 => $OLB = RETURN ]
        ]
    ]
    %Pros [
        source(%Inp/ n : Int; %Chn/ out(*, c : NM) : Int) == [
            %Alg [ LB = s1 => $O out ! n ^ $OLB = s2; LB = s2 => $OLB = STOP ]
        ];
        sink(%Iop/ got : Int; %Chn/ inq(p : NM, *) : Int) == [
            %Alg [ LB = k1 => $O inq ? got ^ $OLB = k2; LB = k2 => $OLB = STOP ]
        ];
        ping(%Inp/ n : Int; %Chn/ out(*, c : NM) : Int, inq(p : NM, *) : Int) == [
            %Loc [ v : Int ]
            %Alg [ LB = b1 => $O out ! n ^ $OLB = b2; LB = b2 => $O inq ? v ^ $OLB = b3; LB = b3 => Writeln(v + 1000); LB = b4 => $OLB = STOP ]
        ];
        pong(%Inp/ n : Int; %Chn/ out(*, c : NM) : Int, inq(p : NM, *) : Int) == [
            %Loc [ v : Int ]
            %Alg [ LB = g1 => $O inq ? v ^ $OLB = g2; LB = g2 => Writeln(v + 2000); LB = g3 => $O out ! n ^ $OLB = g4; LB = g4 => $OLB = STOP ]
        ]
    ]
    [
        %Loc [ a_b, c, a, b_c, x, x_x : NM; first, second : Int ]
        %Stm [
            LB = s0 => q( );
            LB = s1 => p_q( );
            LB = s2 => $O a_b == sink ^ $O a == sink ^ $O c == source ^ $O b_c == source ^ $OLB = NEXT;
            LB = s3 => || [ c(%Inp/ 30 | n; %Chn/ ch(*, a_b) | out(*, a_b));
                            a_b(%Iop/ first | got; %Chn/ ch(c, *) | inq(c, *));
                            b_c(%Inp/ 40 | n; %Chn/ ch(*, a) | out(*, a));
                            a(%Iop/ second | got; %Chn/ ch(b_c, *) | inq(b_c, *)) ];
            LB = s4 => Writeln(first, " ", second);
            LB = s5 => $O x == ping ^ $O x_x == pong ^ $OLB = NEXT;
            LB = s6 => || [ x(%Inp/ 1 | n; %Chn/ ch(*, x_x) | out(*, x_x); %Chn/ ch(x_x, *) | inq(x_x, *));
                            x_x(%Inp/ 2 | n; %Chn/ ch(*, x) | out(*, x); %Chn/ ch(x, *) | inq(x, *)) ];
            LB = s7 => $OLB = RETURN
        ]
    ]
].
