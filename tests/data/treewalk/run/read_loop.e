%Prog read_loop == [ ] [
  [ %Loc [ f : stream ; e : bool ; n, k : int ]
    %Alg [
      LB = A1 => $O k = 0 ^ $OLB = A2 ;
      LB = A2 => fopen(f, "nodir/x.txt") ;
      LB = A3 => feof(f, e) ;
      LB = A4 ^ e => $OLB = A7 ;
      LB = A4 ^ k > 100000 => $OLB = A7 ;
      LB = A4 => $O k = k + 1 ^ $OLB = A5 ;
      LB = A5 => fread(f, n) ;
      LB = A6 => $OLB = A3 ;
      LB = A7 => writeln(k) ;
      LB = A8 => fclose(f) ;
      LB = A9 => $OLB = RETURN ] ] ] .
