%MProg starter == [ ]
[
    %Glob [ Steps = 3 : Int ]
    %Var [ done : Bool ]
    [
        %Loc [ k : Int; clock : NM ]
        %Proc [
            outer(%Inp/ depth : Int) == [
                %Proc [ inner( ) == [ %Stm [ LB = i => $OLB = RETURN ] ] ]
                %Stm [ LB = o => $OLB = RETURN ]
            ]
        ]
        %Stm [ LB = m => $OLB = RETURN ]
    ]
].
