%Prog frames == [ ]
[
    %Type [ Row = Array(Int; 3); Pair = Record(x, y : Int) ]
    %Proc [
        outer(%Inp/ v : Row) == [
            %Loc [ p : Pair; g : Array(Int; 2, 3) ]
            %Proc [
                inner( ) == [
                    %Stm [
                        LB = n1 => $O p.y = p.x + v[2] ^ $O g[1][2] = v[1] * 10 ^ $OLB = NEXT;
                        LB = n2 => $OLB = RETURN
                    ]
                ]
            ]
            %Stm [
                LB = o1 => $O p.x = 4 ^ $OLB = NEXT;
                LB = o2 => inner( );
                LB = o3 => Writeln(p.x, " ", p.y, " ", g[1][2]);
                LB = o4 => $OLB = RETURN
            ]
        ]
    ]
    %Pros [
        worker(%Inp/ r : Row; %Iop/ total : Int) == [
            %Proc [
                add( ) == [ %Stm [ LB = a1 => $O total = total + r[0] + r[2] ^ $O r[0] = 0 ^ $OLB = NEXT; LB = a2 => $OLB = RETURN ] ]
            ]
            %Alg [
                LB = w1 => add( );
                LB = w2 => add( );
                LB = w3 => $OLB = STOP
            ]
        ];
        idle( ) == [ %Alg [ LB = i1 => $OLB = STOP ] ]
    ]
    [
        %Loc [ w, i : NM; t : Int; row : Row ]
        %Stm [
            LB = b => $O w == worker ^ $O i == idle ^ $O t = 1 ^ $O row[0] = 5 ^ $O row[1] = 6 ^ $O row[2] = 7 ^ $OLB = NEXT;
            LB = m => || [ w(%Inp/ row | r; %Iop/ t | total); i( ) ];
            LB = p => Writeln(t, " ", row[0]);
            LB = q => outer(%Inp/ row | v);
            LB = e => $OLB = RETURN
        ]
    ]
].
