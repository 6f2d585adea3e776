%DProg stray == [ ]
[
    Syn
    %Var [ used : Int @ ]
].
