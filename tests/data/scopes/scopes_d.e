%DProg scopes_d == [ ]
[
    Syn
    %Glob [ gd = 6 : Int ]
    %Var [ nd : Int ]
    %Pros [
        dset(%Inp/ k : Int) == [
            %Stm [ LB = d1 => $O nd = k ^ $OLB = NEXT; LB = d2 => Writeln("dset nd: ", nd); LB = d3 => $OLB = STOP ]
        ]
    ]
    %Pack [ pd :
        %Loc [ nd : Int; gd : Int ]
        %Proc [ setpd( ) == [ %Stm [ LB = a1 => $O nd = 81 ^ $O gd = 82 ^ $OLB = NEXT; LB = a2 => $OLB = RETURN ] ] ]
    ]
    %Agt [
        [ wd(%Inp/ k : Int) == [
              %Alg [ LB = v1 => setpd( ); LB = v2 => Writeln("wd nd: ", nd, " gd: ", gd); LB = v3 => $OLB = STOP ]
          ];
          %Pack [ qd : %Father [ pd ] ]
        ]
    ]
].
