%Prog shared_first == [ ]
[
    Syn
    %Var [ total : Int ]
    [
        %Stm [ LB = a => $O total = 3 ^ $OLB = NEXT;
               LB = b => Writeln(total);
               LB = c => $OLB = RETURN ]
    ]
].
