%Prog uneven_pace == [ ]
[
    Asyn
    %Pros [
        producer(%Inp/ work : Int; %Chn/ out(*, k : NM) : Int) == [
            %Loc [ i, j, w : Int ]
            %Stm [
                LB = s => $O i = 1 ^ $O w = 0 ^ $OLB = NEXT;
                * [ LB = l ^ i =< 3000 => ( $OLB = l | $OLB = EXIT )
                    LB = busy => $O j = 0 ^ $OLB = NEXT;
                    * [ LB = b ^ j < work => ( $OLB = b | $OLB = EXIT )
                        LB = step => $O w = (w * 7 + j) Mod 1000 ^ $O j = j + 1 ^ $OLB = b ];
                    LB = send => $O out ! i ^ $O i = i + 1 ^ $OLB = l ];
                LB = e => $OLB = STOP
            ]
        ];
        consumer(%Inp/ name : String; %Inp/ work : Int; %Chn/ inq(k : NM, *) : Int) == [
            %Loc [ n, v, s, j, w : Int ]
            %Stm [
                LB = s0 => $O n = 0 ^ $O s = 0 ^ $O w = 0 ^ $OLB = NEXT;
                * [ LB = l ^ n < 3000 => ( $OLB = l | $OLB = EXIT )
                    LB = r => $O inq ? v ^ $O j = 0 ^ $OLB = NEXT;
                    LB = a => $O s = s + v ^ $OLB = NEXT;
                    * [ LB = b ^ j < work => ( $OLB = b | $OLB = EXIT )
                        LB = step => $O w = (w * 7 + j) Mod 1000 ^ $O j = j + 1 ^ $OLB = b ];
                    LB = c => $O n = n + 1 ^ $OLB = l ];
                LB = w0 => Writeln(name, " ", s, " ", w >= 0);
                LB = e => $OLB = STOP
            ]
        ]
    ]
    [
        %Loc [ p, c : NM ]
        %Stm [
            LB = b => $O p == producer ^ $O c == consumer ^ $OLB = NEXT;
            LB = ahead => || [ p(%Inp/ 0 | work; %Chn/ x(c, *) | out(c, *));
                               c(%Inp/ "ahead" | name; %Inp/ 2000 | work; %Chn/ x(*, p) | inq(*, p)) ];
            LB = behind => || [ p(%Inp/ 2000 | work; %Chn/ x(c, *) | out(c, *));
                                c(%Inp/ "behind" | name; %Inp/ 0 | work; %Chn/ x(*, p) | inq(*, p)) ];
            LB = e => $OLB = RETURN
        ]
    ]
].
