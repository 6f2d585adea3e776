%Prog mismatched_types == [ ]
[
    Syn
    %Type [ R = Record(a : Int; b : Int) ]
    %Glob [ K = "x" : Int; L = 4 : Int; M = 2 : Float ]
    %Proc [
        show(%Inp/ n : Int; %Iop/ f : Float) == [ %Stm [ LB = s => Writeln(n, f);
                                                         LB = t => $OLB = RETURN ] ]
    ]
    [
        %Loc [ p : Point(Int); s : String; i : Int; g : Float; r : R ]
        %Stm [ LB = a => $O p = &L ^ $OLB = NEXT;
               LB = b => show(%Inp/ s | n; %Iop/ i | f);
               LB = c => show(%Inp/ g | n; %Iop/ g | f);
               LB = d => Itoc(66, i);
               LB = e => Read(r);
               LB = f => Itoc(66, s);
               LB = h => Ungetchar(i);
               LB = k => Getchar(r);
               LB = g => $OLB = RETURN ]
    ]
].
