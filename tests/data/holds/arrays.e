%Prog arrays == [ ]
[
    %Type [ Row = Array(Int; 3); Grid = Array(Int; 2, 3) ]
    %Proc [
        modify(%Inp/ v : Row; %Inp/ g : Grid; %Inp/ w : Array(String; 2)) == [
            %Stm [
                LB = m1 => $O v[0] = 99 ^ $O g[1][2] = 77 ^ $O w[1] = "changed" ^ $OLB = NEXT;
                LB = m2 => Writeln(v[0], " ", v[1], " ", g[1][2], " ", w[0], " ", w[1]);
                LB = m3 => pass(%Inp/ v | u);
                LB = m4 => Writeln(v[2]);
                LB = m5 => $OLB = RETURN
            ]
        ];
        pass(%Inp/ u : Row) == [
            %Stm [ LB = p1 => $O u[2] = 55 ^ $OLB = NEXT; LB = p2 => Writeln(u[0], " ", u[2]); LB = p3 => $OLB = RETURN ]
        ]
    ]
    [
        %Loc [ a : Row; b : Grid; s : Array(String; 2) ]
        %Stm [
            LB = S1 => $O a[0] = 1 ^ $O a[1] = 2 ^ $O a[2] = 3 ^ $O b[1][2] = 6 ^ $O s[0] = "x" ^ $O s[1] = "y" ^ $OLB = NEXT;
            LB = S2 => modify(%Inp/ a | v; %Inp/ b | g; %Inp/ s | w);
            LB = S3 => Writeln(a[0], " ", a[1], " ", a[2], " ", b[1][2], " ", s[0], " ", s[1]);
            LB = S4 => $OLB = RETURN
        ]
    ]
].
