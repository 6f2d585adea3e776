// Known fault: an array passed to a procedure by %Inp/ turns into a C++ pointer, whose address does not fit the frame's field (g++: cannot convert 'int (**)[3]' to 'int (**)[4]').
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
