// A small program for the typesetting pass.
%Prog small == [ ] [
  %Var [ a : Array(Int; 4);
         i : Int ]

  [ %Stm [ LB = s => $O a[i /* index */] = 1 ^ $OLB = NEXT;
    LB = r => $OLB = RETURN ] ]
].
