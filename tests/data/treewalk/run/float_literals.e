%Prog float_literals == [ ]
[
    %Glob [ tenth = 0.1 : Float; minusTenth = -0.1 : Float; k = 2.75 : Int; minusK = -2.75 : Int;
            huge = 1000000000000000000000000000000000000000.0 : Float; tiny = 0.000000000000000000000000000000000000000000000000001 : Float ]
    %Proc [ same(%Inp/ x : Float) == [
              %Alg [ LB = p1 => Writeln(x = 0.1, " ", x * 10.0 = 1.0);
                     LB = p2 => $OLB = RETURN ] ] ]
    %Pros [ w(%Inp/ x : Float) == [ %Stm [ LB = a => Writeln(x = 0.1, " ", -x = -0.1); LB = e => $OLB = STOP ] ]; idle( ) == [ %Stm [ LB = a => $OLB = STOP ] ] ]
    [
        %Loc [ f, g, h : Float; i, j : Int; p, q : NM ]
        %Stm [
            LB = m1 => $O f = 0.1 ^ $O g = 16777217.0 ^ $OLB = NEXT;
            LB = m2 => Writeln(f = 0.1, " ", tenth = 0.1, " ", g = 16777217.0, " ", f /= 0.1);
            LB = m3 => Writeln(16777217.0 - 16777216.0, " ", g - 16777216.0, " ", f * 3.0 - 0.3);
            LB = m4 => same(%Inp/ 0.1 | x);
            LB = m5 => Writeln(1.5 + 2, " ", 7 / 2 * 1.0, " ", -2.5 * 2, " ", 0.000001);
            LB = m6 => $O i = 2.75 ^ $O j = -2.75 ^ $O h = huge ^ $O p == w ^ $O q == idle ^ $OLB = NEXT;
            LB = m7 => Writeln(k, " ", minusK, " ", i, " ", j, " ", minusTenth = -0.1, " ", (If i = 2 Then 0.1 Else 0.2) = f);
            LB = m8 => Writeln(h = 1000000000000000000000000000000000000000.0, " ", huge = h, " ", h, " ", -h = -1000000000000000000000000000000000000000.0, " ", tiny, " ", tiny = 0.000000000000000000000000000000000000000000000000001);
            LB = m9 => || [ p(%Inp/ 0.1 | x); q( ) ];
            LB = e => $OLB = RETURN
        ]
    ]
].
