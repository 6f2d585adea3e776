%Prog files == [ ]
[
    %Var [ total : Int ]
    [
        %Loc [ f : Stream; a, b, c : Int; word : String; over : Bool ]
        %Stm [
            LB = o => Fopen(f, "numbers.txt");
            LB = w => Fwriteln(f, 12, " ", 30);
            LB = w2 => Fwrite(f, "word ", 7);
            LB = x => Fclose(f);
            LB = r => Fopen(f, "numbers.txt");
            LB = r2 => Fread(f, a, b, a);
            LB = r3 => Fread(f, word, c);
            LB = e1 => Feof(f, over);
            LB = y => Fclose(f);
            LB = s => $O total = a + b + c ^ $OLB = NEXT;
            LB = p => Writeln(word, " ", a, " ", b, " ", c, " ", total);
            LB = e => $OLB = RETURN
        ]
    ]
].
