%Prog unended == [ ]
[
    Syn
    [
        %Loc [ i : Int ]
        %Stm [
            LB = b => writeln(1);
            LB = c => write(2);
            LB = e => $OLB = RETURN
        ]
    ]
].
