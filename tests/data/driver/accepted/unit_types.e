%Prog unit_types == [ ]
[
    Syn
    %Pack [ base : %Type [ Id = Int ] %Loc [ k : Int ] ]
    %Agt [ [ spy(%Inp/ n : Int) == [ %Alg [ LB = s => $OLB = STOP ] ]; %Pack [ eyes : %Type [ T = Int ] ] ] ]
    [
        %Loc [ n : Int ]
        %Stm [ LB = a => $O n = 1 ^ $OLB = NEXT;
               LB = b => $OLB = RETURN ]
    ]
].
