%Prog broken ==
[ ]
[
    %Type [
        Pair = record(a, 5, b : int c : float);
        Grid = Array(Int 3);
        Bad = nm
    ]
    %Var [ x, y : Stream; z : %Loc ]
    [ %Stm [ LB=s=>$OLB=RETURN ] ]
]
