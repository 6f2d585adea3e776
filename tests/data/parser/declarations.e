%Prog shop ==
[ ]
[
    Syn
    %Type [
        Money = float;
        Item = Record(name : string; price, tax : Money; tags : Array(String; 4, 2));
        Cell = union(i : Int; f : FLOAT);
        Link = Point(Item)
    ]
    %Glob [
        Limit = 100 : int;
        Rate = -0.5 : float;
        Greeting = "hello" : String;
        Yes = TT : bool;
        No = $f : logic
    ]
    %Var [
        total, count : int;
        log : Stream;
        first, last : link
    ]
    [
        %Loc [ i : Nm; buf : array(Item; 8) ]
        %Stm [ LB=s=>$OLB=RETURN ]
    ]
].
