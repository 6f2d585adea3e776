%Prog swap == [ ]
[
    %Var [ x, y, u, v, q2 : Int ]
    [
        %Stm [
            LB = S1 => $O x = 1 ^ $O y = 2 ^ $OLB = NEXT;
            LB = S2 => $O x = y ^ $O y = x ^ $OLB = NEXT;
            LB = S3 => $O u = x ^ $O v = y ^ $OLB = NEXT;
            LB = S4 => >> [ $O x = y; $O y = 7 ] ^ $OLB = NEXT;
            LB = S5 => $O NewDec(q : Int) ^ $OLB = NEXT;
            LB = S6 => $O q = x + y ^ $OLB = NEXT;
            LB = S7 => $O q2 = q * 2 ^ $OLB = NEXT;
            LB = S8 => Writeln(x, " ", y, " ", u, " ", v, " ", q2);
            LB = S9 => $OLB = RETURN
        ]
    ]
].
