%Prog unbound_on_a_path == [ ]
[
    Syn
    %Pros [
        worker(%Inp/ n : Int) == [ %Stm [ LB = w => Writeln(n);
                                          LB = x => $OLB = STOP ] ]
    ]
    [
        %Loc [ p, q : NM; k : Int ]
        %Stm [ LB = a => $O k = 1 ^ $O q == worker ^ $OLB = NEXT;
               LB = b ^ k > 1 => ( $O p == worker ^ $OLB = NEXT | $OLB = NEXT );
               LB = c => Writeln("before");
               LB = d => || [ p(%Inp/ 5 | n); q(%Inp/ 6 | n) ];
               LB = e => Writeln("after");
               LB = f => $OLB = RETURN ]
    ]
].
