%Prog shop == [ ]
[
    Syn
    %Glob [ Limit = 10 : Int; Low = -3 : Int; Rate = 0.5 : Float; Cut = -1.25 : Float;
            Name = "shop" : String; Open = TT : Bool; Shut = $f : Logic ]
    %Var [ total, count : Int; price : Float; label : String; ok : Bool; seen : Logic; log : Stream ]
    %Proc [
        add(%Inp/ a, b : Int; %Iop/ sum : Int) == [
            %Loc [ t : Int; tick : NM ]
            %Proc [
                scale(%Inp/ f : Float) == [ %Stm [ LB = s2 => $OLB = RETURN ] ]
            ]
            %Stm [ LB = s1 => $OLB = RETURN ]
        ];
        noop( ) == [ %Alg [ LB = n => $OLB = RETURN ] ]
    ]
    %Pros [
        worker(%Inp/ n : Int; %Iop/ acc : Float; %Chn/ inq(i : NM, *) : Int, outq(*, j : nm) : Float) == [
            %Loc [ out : Stream ]
            %Alg [ LB = a => $OLB = STOP ]
        ];
        idle( ) == [ %Stm [ LB = h => $OLB = STOP ] ]
    ]
    [
        %Loc [ i : Int; note : String ]
        %Proc [ helper(%Iop/ x : Int) == [ %Stm [ LB = h1 => $OLB = RETURN ] ] ]
        %Stm [ LB = m => $OLB = RETURN ]
    ]
].
