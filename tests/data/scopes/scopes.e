%Prog scopes == [ ]
[
    Syn
    %Glob [ g = 5 : Int ]
    %Var [ n : Int; s : String; x : Int; t : Int; a : NM ]
    %Proc [
        f( ) == [ %Stm [ LB = f1 => Writeln("f: the program's f"); LB = f2 => $OLB = RETURN ] ];
        pr(%Inp/ x : Int) == [
            %Loc [ s : Int; a, b : NM ]
            %Proc [
                prn( ) == [
                    %Loc [ t : Int ]
                    %Stm [
                        LB = n1 => $O t = 11 ^ $OLB = NEXT;
                        LB = n2 => Writeln("prn x: ", x, " s: ", s, " t: ", t, " n: ", n);
                        LB = n3 => $OLB = RETURN
                    ]
                ];
                bind( ) == [ %Stm [ LB = b1 => $O a == worker ^ $O b == idle ^ $OLB = NEXT; LB = b2 => $OLB = RETURN ] ];
                start( ) == [ %Stm [ LB = s1 => || [ a(%Inp/ 2 | k); b(%Inp/ 0 | k) ]; LB = s2 => $OLB = RETURN ] ]
            ]
            %Alg [
                LB = r1 => $O s = 10 ^ $OLB = r2;
                LB = r2 => Writeln("pr x: ", x, " s: ", s, " n: ", n);
                LB = r3 => prn( );
                LB = r4 => bind( );
                LB = r5 => || [ a(%Inp/ 1 | k); b(%Inp/ 0 | k) ];
                LB = r6 => start( );
                LB = r7 => $O NewDec(n : Int) ^ $OLB = r8;
                LB = r8 => $O n = 12 ^ $OLB = r9;
                LB = r9 => Writeln("pr NewDec n: ", n);
                LB = r10 => $OLB = RETURN
            ]
        ]
    ]
    %Pros [
        idle(%Inp/ k : Int) == [ %Alg [ LB = i1 => $OLB = STOP ] ];
        worker(%Inp/ k : Int) == [
            %Loc [ t : Int ]
            %Alg [
                LB = k1 => $O t = 13 ^ $OLB = k2;
                LB = k2 => Writeln("worker ", k, " t: ", t, " n: ", n);
                LB = k3 => $OLB = STOP
            ]
        ]
    ]
    %Pack [ p1 :
        %Loc [ n : Int; g : Int; s : Int; r : Int ]
        %Proc [
            set1( ) == [ %Stm [ LB = a1 => $O n = 21 ^ $O g = 22 ^ $O s = 23 ^ $O r = 24 ^ $OLB = NEXT; LB = a2 => $OLB = RETURN ] ];
            e( ) == [ %Stm [ LB = e1 => Writeln("e: p1's e"); LB = e2 => $OLB = RETURN ] ];
            show1( ) == [ %Stm [ LB = h1 => Writeln("p1 n: ", n); LB = h2 => $OLB = RETURN ] ]
        ]
    ];
    %Pack [ p2 : %Father [ p1 ]
        %Loc [ m : Int ]
        %Proc [
            set2( ) == [ %Stm [ LB = a1 => $O m = 31 ^ $OLB = NEXT; LB = a2 => $OLB = RETURN ] ];
            f( ) == [ %Stm [ LB = f1 => Writeln("f: p2's f"); LB = f2 => $OLB = RETURN ] ];
            show2( ) == [ %Stm [ LB = h1 => Writeln("p2 n: ", n, " m: ", m); LB = h2 => $OLB = RETURN ] ]
        ]
    ]
    %Agt [
        [ w(%Inp/ k : Int) == [
              %Loc [ x : Int ]
              %Proc [
                  inner( ) == [ %Stm [ LB = i1 => Writeln("inner x: ", x, " k: ", k, " n: ", n); LB = i2 => $OLB = RETURN ] ]
              ]
              %Alg [
                  LB = w1 => set1( );
                  LB = w2 => set2( );
                  LB = w3 => setq( );
                  LB = w4 => $O x = 8 ^ $OLB = w5;
                  LB = w5 => Writeln("w n: ", n, " g: ", g, " s: ", s + "!");
                  LB = w6 => Writeln("w m: ", m, " r: ", r, " x: ", x, " k: ", k, " t: ", t);
                  LB = w7 => Writeln("w If: ", If k = 0 Then 0 Else n, " ", If k = 7 Then n Else 0);
                  LB = w8 => f( );
                  LB = w9 => e( );
                  LB = w10 => h( );
                  LB = w11 => show1( );
                  LB = w12 => show2( );
                  LB = w13 => inner( );
                  LB = w14 => $O NewDec(n : Int) ^ $OLB = w15;
                  LB = w15 => $O n = 61 ^ $OLB = w16;
                  LB = w16 => Writeln("w NewDec n: ", n);
                  LB = w17 => $OLB = STOP
              ]
          ];
          %Pack [ q : %Father [ p2 ]
              %Loc [ k : Int; x : Int; t : Int; y : Int ]
              %Proc [
                  setq( ) == [ %Stm [ LB = a1 => $O k = 41 ^ $O x = 42 ^ $O t = 43 ^ $O y = 44 ^ $OLB = NEXT; LB = a2 => $OLB = RETURN ] ];
                  h( ) == [
                      %Loc [ y : Int ]
                      %Proc [
                          hh( ) == [ %Stm [ LB = g1 => Writeln("hh y: ", y, " n: ", n); LB = g2 => $OLB = RETURN ] ]
                      ]
                      %Alg [
                          LB = c1 => $O y = 51 ^ $OLB = c2;
                          LB = c2 => Writeln("h n: ", n, " t: ", t, " y: ", y);
                          LB = c3 => hh( );
                          LB = c4 => f( );
                          LB = c5 => $O NewDec(t : Int) ^ $OLB = c6;
                          LB = c6 => $O t = 52 ^ $OLB = c7;
                          LB = c7 => Writeln("h NewDec t: ", t);
                          LB = c8 => $OLB = RETURN
                      ]
                  ]
              ]
          ]
        ]
    ]
    [
        %Loc [ c, z : NM ]
        %Stm [
            LB = m1 => $O n = 1 ^ $O s = "shared s" ^ $O x = 3 ^ $O t = 4 ^ $OLB = NEXT;
            LB = m2 => pr(%Inp/ 9 | x);
            LB = m3 => $O c == w ^ $O z == idle ^ $OLB = NEXT;
            LB = m4 => || [ c(%Inp/ 7 | k); z(%Inp/ 0 | k) ];
            LB = m5 => $O c == dset ^ $OLB = NEXT;
            LB = m6 => || [ c(%Inp/ 71 | k); z(%Inp/ 0 | k) ];
            LB = m7 => $O c == wd ^ $OLB = NEXT;
            LB = m8 => || [ c(%Inp/ 0 | k); z(%Inp/ 0 | k) ];
            LB = m9 => Writeln("main n: ", n, " s: ", s, " x: ", x, " t: ", t);
            LB = m10 => $OLB = RETURN
        ]
    ]
].
