%Prog newdecs == [ ]
[
    %Var [ x : Int ]
    %Proc [
        branch(%Inp/ k : Int) == [
            %Stm [
                LB = I ^ k = 4 => ( $O NewDec(r : Int) ^ $O r = 1 ^ $OLB = NEXT | $O r = 2 ^ $OLB = NEXT );
                LB = S2 => $O r = r + k * 10 ^ $OLB = NEXT;
                LB = S3 => Writeln(r, " ", k);
                LB = S4 => $OLB = RETURN
            ]
        ]
    ]
    [
        %Alg [
            LB = A => $O NewDec(q : Int) ^ $O NewDec(s : String) ^ $O x = 2 ^ $OLB = B;
            LB = B => $O q = 5 + x ^ $O s = "seven" ^ $OLB = C;
            LB = C => Writeln(q, " ", s);
            LB = D => branch(%Inp/ 4 | k);
            LB = E => branch(%Inp/ 3 | k);
            LB = F => $OLB = RETURN
        ]
    ]
].
