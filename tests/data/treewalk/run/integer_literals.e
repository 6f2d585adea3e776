%Prog integer_literals == [ ]
[
    %Type [ Ten = Array(Int; 010) ]
    %Glob [ ten = 010 : Int; minusTen = -010 : Int; least = -2147483648 : Int; tenAsFloat = 010 : Float ]
    %Proc [ show(%Inp/ x : Int) == [ %Stm [ LB = a => Writeln("actual ", x); LB = e => $OLB = RETURN ] ] ]
    %Pros [ w(%Inp/ k : Int) == [ %Stm [ LB = a => Writeln("process ", k); LB = e => $OLB = STOP ] ]; idle( ) == [ %Stm [ LB = a => $OLB = STOP ] ] ]
    [
        %Loc [ a : Ten; i : Int; p, q : NM ]
        %Stm [
            LB = m1 => Writeln(010 + 1, " ", -010, " ", 09, " ", 0);
            LB = m2 => $O a[009] = 7 ^ $O i = 0010 ^ $O p == w ^ $O q == idle ^ $OLB = NEXT;
            LB = m3 => Writeln(ten, " ", minusTen, " ", a[9], " ", i, " ", tenAsFloat, " ", least, " ", -2147483648, " ", 000, " ", 0002147483647);
            LB = m4 => show(%Inp/ 011 | x);
            LB = m5 => || [ p(%Inp/ 012 | k); q( ) ];
            LB = m6 => Writeln(If i = 010 Then 010 Else 0, " ", "text " + 010, " ", 010 Mod 4, " ", 010 / 3);
            LB = e => $OLB = RETURN
        ]
    ]
].
