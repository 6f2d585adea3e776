%Prog queued_at_end == [ ]
[
    Asyn
    %Pros [
        producer(%Chn/ out(*, k : NM) : String) == [
            %Loc [ i : Int ]
            %Stm [
                LB = s => $O i = 1 ^ $OLB = NEXT;
                * [ LB = l ^ i =< 5000 => ( $OLB = l | $OLB = EXIT )
                    LB = send => $O out ! "queued value number " + i ^ $O i = i + 1 ^ $OLB = l ];
                LB = e => $OLB = STOP
            ]
        ];
        consumer(%Chn/ inq(k : NM, *) : String) == [
            %Loc [ n : Int; v : String ]
            %Stm [
                LB = s => $O n = 0 ^ $OLB = NEXT;
                * [ LB = l ^ n < 3 => ( $OLB = l | $OLB = EXIT )
                    LB = r => $O inq ? v ^ $OLB = NEXT;
                    LB = w => Writeln("got ", v);
                    LB = c => $O n = n + 1 ^ $OLB = l ];
                LB = e => $OLB = STOP
            ]
        ]
    ]
    [
        %Loc [ p, c : NM ]
        %Stm [
            LB = b => $O p == producer ^ $O c == consumer ^ $OLB = NEXT;
            LB = run => || [ p(%Chn/ data(c, *) | out(c, *)); c(%Chn/ data(*, p) | inq(*, p)) ];
            LB = d => Write("done");
            LB = e => $OLB = RETURN
        ]
    ]
].
