%Prog union_string == [ ]
[
    Syn
    %Type [ U = Union(s : String; i : Int) ]
    [
        %Loc [ u : U ]
        %Stm [ LB = a => $OLB = RETURN ]
    ]
].
