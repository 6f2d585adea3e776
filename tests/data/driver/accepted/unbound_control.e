%Prog unbound_control == [ ]
[
    Syn
    %Pros [
        worker(%Inp/ n : Int) == [ %Stm [ LB = w => Writeln(n);
                                          LB = x => $OLB = STOP ] ]
    ]
    [
        %Loc [ p, q : NM ]
        %Stm [ LB = a => $O q == worker ^ $OLB = NEXT;
               LB = b => || [ p(%Inp/ 5 | n); q(%Inp/ 6 | n) ];
               LB = c => $OLB = RETURN ]
    ]
].
