%Prog pipeline == [ ]
[
    Syn
    %Glob [ Count = 5 : Int ]
    %Pros [
        producer(%Inp/ n : Int; %Chn/ out(*, c : NM) : Int) == [
            %Loc [ i : Int ]
            %Alg [
                LB = p1 => $O i = 1 ^ $OLB = p2;
                LB = p2 ^ i =< n => $O out ! i * i ^ $O i = i + 1 ^ $OLB = p2;
                LB = p3 => $OLB = STOP
            ]
        ];
        consumer(%Inp/ n : Int; %Chn/ inq(p : NM, *) : Int) == [
            %Loc [ v, k : Int ]
            %Alg [
                LB = c1 => $O k = 0 ^ $OLB = c2;
                LB = c2 ^ k < n => $O inq ? v ^ $OLB = c3;
                LB = c4 => $OLB = STOP;
                LB = c3 => writeln(v);
                LB = c5 => $O k = k + 1 ^ $OLB = c2
            ]
        ]
    ]
    [
        %Stm [
            LB = m => || [ producer(%Inp/ Count | n; %Chn/ ch(*, consumer) | out(*, c));
                           consumer(%Inp/ Count | n; %Chn/ ch(producer, *) | inq(p, *)) ];
            LB = e => $OLB = RETURN
        ]
    ]
].
