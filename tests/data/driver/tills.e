%MProg tills == [ ]
[
    %Glob [ Lanes = 2 : Int ]
    [
        %Stm [ LB = t => $OLB = RETURN ]
    ]
].
