%Prog start_actuals == [ ]
[
    Syn
    %Pros [
        worker(%Inp/ n : Int; %Iop/ sum : Float) == [ %Stm [ LB = w => Writeln(n);
                                                            LB = x => $OLB = STOP ] ]
    ]
    [
        %Loc [ p, q : NM; k : Int; f : Float ]
        %Stm [ LB = a => $O p == worker ^ $O q == worker ^ $OLB = NEXT;
               LB = b => || [ p(%Inp/ "x" | n; %Iop/ f | sum); q(%Inp/ 6.5 | n; %Iop/ k | sum) ];
               LB = c => $OLB = RETURN ]
    ]
].
