%Prog lines == [ ]
[
    %Pros [
        writer(%Inp/ k, n : Int) == [
            %Loc [ i : Int ]
            %Stm [
                LB = s => $O i = 1 ^ $OLB = NEXT;
                * [ LB = l ^ i =< n => ( $OLB = l | $OLB = EXIT )
                    LB = w => Writeln("process ", k, " line ", i, " of ", n, " ends here");
                    LB = c => $O i = i + 1 ^ $OLB = l ];
                LB = e => $OLB = STOP
            ]
        ]
    ]
    [
        %Loc [ a, b, c, d : NM ]
        %Stm [
            LB = bind => $O a == writer ^ $O b == writer ^ $O c == writer ^ $O d == writer ^ $OLB = NEXT;
            LB = run => || [ a(%Inp/ 1 | k; %Inp/ 3000 | n); b(%Inp/ 2 | k; %Inp/ 3000 | n);
                             c(%Inp/ 3 | k; %Inp/ 3000 | n); d(%Inp/ 4 | k; %Inp/ 3000 | n) ];
            LB = d => Write("all ", 4, " done");
            LB = e => $OLB = RETURN
        ]
    ]
].
