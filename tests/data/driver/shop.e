%Prog shop == [ ]
[
    Syn
    %Glob [ Limit = 10 : Int ]
    %Var [ total : Int ]
    %Pros [
        worker(%Inp/ n : Int; %Chn/ inq(i : NM, *) : Int) == [ %Alg [ LB = a => $OLB = STOP ] ]
    ]
    [
        %Loc [ i : Int ]
        %Stm [ LB = m => $OLB = RETURN ]
    ]
].
