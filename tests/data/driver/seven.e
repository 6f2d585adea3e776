%Prog seven == [ ]
[
    Syn
    [
        %Stm [ LB = m => writeln(7); LB = e => $OLB = RETURN ]
    ]
].
