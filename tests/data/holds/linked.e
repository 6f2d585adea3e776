%Prog linked == [ ]
[
    %Type [ Node = Record(link : Point(Node); value : Int) ]
    [
        %Loc [ a, b, c : Node ]
        %Stm [
            LB = S1 => $O c.value = 9 ^ $O b.value = 7 ^ $O a.value = 1 ^ $O a.link = &b ^ $O b.link = &c ^ $OLB = NEXT;
            LB = S2 => $O a.link->link->value = a.link->value + 30 ^ $OLB = NEXT;
            LB = S3 => Writeln(a.link->value, " ", a.value, " ", a.link->link->value, " ", c.value);
            LB = S4 => $OLB = RETURN
        ]
    ]
].
