%Prog broken == [ ]
[
    Syn
    %Var [ total : Int
    [
        %Stm [ LB = m => $OLB = RETURN ]
    ]
].
