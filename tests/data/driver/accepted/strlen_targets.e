%Prog strlen_targets == [ ]
[
    Syn
    [
        %Loc [ s : String; n : Int; f : Float ]
        %Stm [
            LB = a => Strlen(s, "abcd");
            LB = b => Strlen(n, "abc");
            LB = c => Strlen(f, "ab");
            LB = d => Writeln(s, " ", n, " ", f);
            LB = e => $OLB = RETURN
        ]
    ]
].
