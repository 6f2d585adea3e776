%Prog walk == [ ]
[
    %Type [ Node = Record(link : Point(Node); value : Int) ]
    %Var [ head : Node ]
    %Proc [
        sum(%Inp/ start : Point(Node); %Inp/ n : Int; %Iop/ total : Int) == [
            %Loc [ p : Point(Node); k : Int ]
            %Stm [
                LB = s1 => $O p = start ^ $O k = 0 ^ $O total = 0 ^ $OLB = NEXT;
                * [ LB = l ^ k < n => ( $OLB = l | $OLB = EXIT )
                    LB = f => $O total = total + p->value ^ $O p = p->link ^ $O k = k + 1 ^ $OLB = l ];
                LB = s2 => $OLB = RETURN
            ]
        ]
    ]
    [
        %Loc [ b, c : Node; t : Int ]
        %Stm [
            LB = S1 => $O head.value = 1 ^ $O b.value = 20 ^ $O c.value = 300 ^ $O head.link = &b ^ $O b.link = &c ^ $O c.link = &head ^ $OLB = NEXT;
            LB = S2 => sum(%Inp/ &head | start; %Inp/ 4 | n; %Iop/ t | total);
            LB = S3 => Writeln(t, " ", head.link->link->link->value);
            LB = S4 => $OLB = RETURN
        ]
    ]
].
