%Prog syntax_error == [ ]
[
    Syn
    [
        %Stm [ LB = a => $OLB = RETURN ]
    ]
]
