// Differential check: an array value parameter passed on to a %Iop/ formal, of a procedure or of a process started, is the parameter's array (g++ once refused it: invalid initialization of reference of type 'int (&)[3]' from expression of type 'int*').
%Prog r == [ ]
[
	%Type [
		T1 = Array(Int; 3)
	]
	%Proc [
		bump(%Iop/ b : T1) == [
			%Stm [
				LB = s1 => $O b[0] = b[0] + 1 ^ $OLB = RETURN
			]
		]
	]
	%Pros [
		add(%Iop/ q : T1) == [ %Stm [ LB = s10 => $O q[1] = q[1] + 10 ^ $OLB = NEXT; LB = s11 => $OLB = STOP ] ];
		w(%Inp/ a : T1) == [
			%Loc [ n1, n2 : NM ]
			%Proc [ inner() == [ %Stm [ LB = s12 => bump(%Iop/ a | b); LB = s13 => $OLB = RETURN ] ] ]
			%Stm [
				LB = s14 => inner();
				LB = s15 => $O n1 == add ^ $O n2 == add ^ $OLB = NEXT;
				LB = s16 => || [ n1(%Iop/ a | q); n2(%Iop/ a | q) ];
				LB = s17 => Writeln(a[0], " ", a[1]);
				LB = s18 => $OLB = STOP
			]
		]
	]
	[
		%Loc [ x : T1; c1, c2 : NM ]
		%Stm [
			LB = s6 => $O x[0] = 5 ^ $O x[1] = 1 ^ $O c1 == w ^ $O c2 == w ^ $OLB = NEXT;
			LB = s7 => || [ c1(%Inp/ x | a); c2(%Inp/ x | a) ];
			LB = s8 => Writeln(x[0], " ", x[1]);
			LB = s9 => $OLB = RETURN
		]
	]
].
