%Prog shapes == [ ]
[
    %Type [
        Point2 = Record(x, y : Int);
        Node = Record(link : Point(Node); value : Int);
        Row = Array(Int; 4);
        Grid = Array(Int; 2, 3);
        Cell = Union(i : Int; f : Float)
    ]
    %Var [ total : Int ]
    %Proc [
        add(%Inp/ p : Point2; %Iop/ sum : Int) == [
            %Stm [ LB = a => $O sum = sum + p.x * p.y ^ $OLB = RETURN ]
        ];
        fill(%Iop/ r : Row) == [
            %Loc [ i : Int ]
            %Stm [
                LB = s => $O i = 0 ^ $OLB = NEXT;
                * [ LB = l ^ i < 4 => ( $OLB = l | $OLB = EXIT )
                    LB = f => $O r[i] = i * i ^ $O i = i + 1 ^ $OLB = l ];
                LB = e => $OLB = RETURN
            ]
        ]
    ]
    %Pack [ counter : %Loc [ count : Int ] %Proc [ bump( ) == [ %Stm [ LB = b => $O count = count + 1 ^ $OLB = RETURN ] ] ] ]
    [
        %Loc [ p : Point2; a, b : Node; r : Row; g : Grid; c : Cell; n : Int; q : Point(Point2) ]
        %Stm [
            LB = s => $O p.x = 3 ^ $O p.y = 4 ^ $O total = 1 ^ $O a.value = 5 ^ $O b.value = 6 ^ $O a.link = &b ^ $O q = &p ^ $OLB = NEXT;
            LB = c1 => add(%Inp/ p | p; %Iop/ total | sum);
            LB = c2 => fill(%Iop/ r | r);
            LB = g1 => $O g[1][2] = r[3] + q->x + b.value ^ $O c.i = 7 ^ $OLB = NEXT;
            LB = v => $O n = ? total + 1 : add(%Inp/ p | p; %Iop/ total | sum) ^ $OLB = NEXT;
            LB = w => Writeln(total, " ", r[0], r[1], r[2], r[3], " ", g[1][2], " ", c.i, " ", n);
            LB = e => $OLB = RETURN
        ]
    ]
].
