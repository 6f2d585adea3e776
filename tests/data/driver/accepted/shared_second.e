%DProg shared_second == [ ]
[
    Syn
    %Var [ count : Int; total : Int ]
].
