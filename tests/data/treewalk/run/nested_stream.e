%Prog nested_stream == [ ] [
  %Proc [
    outer() == [
      %Loc [ f : stream ]
      %Proc [
        inner() == [
          %Stm [ LB = I1 => fwriteln(f, "x") ;
                 LB = I2 => $OLB = RETURN ] ] ]
      %Stm [ LB = O1 => fopen(f, "n.txt") ;
             LB = O2 => inner() ;
             LB = O3 => fclose(f) ;
             LB = O4 => $OLB = RETURN ] ] ]
  [ %Stm [ LB = M1 => outer() ;
           LB = M2 => writeln("done") ;
           LB = M3 => $OLB = RETURN ] ] ] .
