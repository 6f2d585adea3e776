// Differential check: an array passed to a procedure by %Inp/ is a copy of the caller's (g++ once refused the frame field: cannot convert 'int (**)[3]' to 'int (**)[4]').
%Prog r == [ ]
[
	%Type [
		T1 = array(INT; 4, 3)
	]
	%Proc [
		p1(%Inp/ a1 : T1) == [
			%Stm [
				LB = s1 => $OLB = RETURN
			]
		]
	]
	[
		%Stm [
			LB = s2 => $OLB = RETURN
		]
	]
].
