%Prog loop == [ ]
[
    Syn
    %Glob [ Step = 1 : Int ]
    %Pros [
        ticker(%Inp/ n : Int) == [
            %Loc [ i : Int ]
            %Alg [
                LB = p1 => writeln(n);
                LB = p2 => $O i = i + n ^ $OLB = p3;
                LB = p3 => $OLB = p2
            ]
        ]
    ]
    [
        %Loc [ t, u : NM ]
        %Stm [
            LB = b => $O t == ticker ^ $O u == ticker ^ $OLB = NEXT;
            LB = m => || [ t(%Inp/ Step | n); u(%Inp/ Step | n) ];
            LB = e => $OLB = RETURN
        ]
    ]
].
