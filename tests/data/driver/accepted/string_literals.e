%Prog string_literals == [ ]
[
    Syn
    [
        %Loc [ s : String ]
        %Stm [
            LB = a => $O s = "two
lines" ^ $OLB = NEXT;
            LB = b => Writeln(s);
            LB = c => Writeln("\uuuu0041\u0042|\uD800|\477|\48|\101|\7|??=|\\|\"|\'|жа\t|");
            LB = d => $OLB = RETURN
        ]
    ]
].
