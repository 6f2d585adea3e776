%Prog shop == [ ]
[
    Asyn
    %Type [ Money = Float; Item = Record(name : String; price : Money) ]
    %Glob [ Limit = 10 : Int ]
    %Var [ total : Int; log : Stream ]
    %Proc [
        add(%Inp/ a, b : Int; %Iop/ sum : Int) == [
            %Loc [ t : Int ]
            %Stm [
                LB1 = s1 => $O t = a + b ^ $OLB1 = NEXT;
                LB1 = s2 ^ t > Limit => ( $O sum = Limit ^ $OLB1 = NEXT | $O sum = t ^ $OLB1 = NEXT );
                >> ( LB1 = s3 => write(sum) );
                * [ LB1 = l1 ^ t > 0 => ( $OLB1 = l1 | $OLB1 = EXIT )
                    LB1 = l2 => $O t = t - 1 ^ $OLB1 = l1 ];
                ? [ LB1 = c1 ^ t = 0 => $OLB1 = z | t = 1 => $OLB1 = o |~ => $OLB1 = d;
                    LB1 = z => $O t = 1 ^ $OLB1 = EXIT;
                    LB1 = o => $O t = 2 ^ $OLB1 = NEXT;
                    LB1 = o2 => $OLB1 = EXIT;
                    LB1 = d => >> [ $O t = 3; $O t = 4 ^ $O NewDec(q : Int) ] ^ $OLB1 = EXIT ];
                LB1 = w1 ^ t > 0 => $O ( $O t = t - 1 ^ ^ LB1 = w1 ) $U ( t = 0 ^ $OLB1 = EXIT;
                LB1 = s4 => $OLB1 = RETURN
            ]
        ];
        noop( ) == [ %Alg [ LB = n => $OLB = RETURN ] ]
    ]
    %Pros [
        worker(%Inp/ n : Int; %Chn/ inq(i : NM, *) : Int, outq(*, j : nm) : Float) == [
            %Alg [
                LB = a ^ n > 0 => $O inq ? t ^ $O outq ! t * 2 ^ $OLB = b;
                LB = b => || [ SetTimer(100) helper{2}(%Inp/ n - 1 | n); helper(%Inp/ 0 | n) ];
                LB = c => !! [ inq? |> $OLB = EXIT, outq! |> $O total = 0 ^ $OLB = Exit ];
                LB = e => $O x == y ^ $O Delete(x) ^ $OLB = STOP
            ]
        ];
        helper(%Inp/ n : Int) == [ %Stm [ LB = h => $OLB = STOP ] ]
    ]
    %Pack [ base : %Type [ Id = Int ] ];
    %pack [ util : %Father [ base, core ] %Loc [ k : Int ] %Proc [ f( ) == [ %Stm [ LB = f1 => $OLB = RETURN ] ] ] ]
    %Agt [ [ spy(%Chn/ c(i : NM, *) : Int) == [ %Alg [ LB = s => $OLB = STOP ] ]; %Pack [ eyes : ] ] ]
    [
        %Stm [ LB = m => $OLB = RETURN ]
    ]
].
