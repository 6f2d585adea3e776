%Prog temps == [ ]
[
    %Var [ next_temp_2 : Int ]
    %Proc [
        f( ) == [
            %Loc [ next_temp_1, next_temp_1_2 : Int ]
            %Stm [
                LB = S1 => $O next_temp_1 = 5 ^ $O next_temp_1_2 = 6 ^ $OLB = NEXT;
                LB = S2 => Writeln(next_temp_1, " ", next_temp_1_2);
                LB = S3 => $OLB = RETURN
            ]
        ]
    ]
    [
        %Stm [
            LB = S1 => $O next_temp_2 = 7 ^ $OLB = NEXT;
            LB = S2 => f( );
            LB = S3 => Writeln(next_temp_2);
            LB = S4 => $OLB = RETURN
        ]
    ]
].
