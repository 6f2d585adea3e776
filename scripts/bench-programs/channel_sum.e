%Prog channelsum == [ ]
[
    Syn
    %Glob [ Count = 200000 : Int ]
    %Pros [
        producer(%Inp/ n : Int; %Chn/ out(*, c : NM) : Int) == [
            %Loc [ i : Int ]
            %Alg [
                LB = p1 => $O i = 1 ^ $OLB = p2;
                LB = p2 ^ i =< n => $O out ! i ^ $O i = i + 1 ^ $OLB = p2;
                LB = p3 => $OLB = STOP
            ]
        ];
        consumer(%Inp/ n : Int; %Chn/ inq(p : NM, *) : Int) == [
            %Loc [ v, k, s : Int ]
            %Alg [
                LB = c1 => $O k = 0 ^ $O s = 0 ^ $OLB = c2;
                LB = c2 ^ k < n => $O inq ? v ^ $O k = k + 1 ^ $OLB = c3;
                LB = c4 => writeln(s);
                LB = c5 => $OLB = STOP;
                LB = c3 => $O s = (s + v) Mod 1000003 ^ $OLB = c2
            ]
        ]
    ]
    [
        %Loc [ p, c : NM ]
        %Stm [
            LB = b => $O p == producer ^ $O c == consumer ^ $OLB = NEXT;
            LB = m => || [ p(%Inp/ Count | n; %Chn/ ch(*, c) | out(*, c));
                           c(%Inp/ Count | n; %Chn/ ch(p, *) | inq(p, *)) ];
            LB = e => $OLB = RETURN
        ]
    ]
].
