%Prog variable_like_a_type == [ ] [
  %Type [ cell = record(x, y : int) ]
  [ %Loc [ t_cell : cell ; r : cell ]
    %Stm [
      LB = A => $O t_cell.x = 1 ^ $O t_cell.y = 2 ^ $OLB = NEXT ;
      LB = B => $O r = t_cell ^ $OLB = NEXT ;
      LB = C => writeln(r.x, ",", r.y) ;
      LB = D => $OLB = RETURN
    ] ] ] .
