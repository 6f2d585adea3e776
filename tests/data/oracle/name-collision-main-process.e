// Differential check: a process named main and a procedure named main_local keep frame types apart from the main body's and from each other.
%Prog r == [ ]
[
	%Var [ g : Int ]
	%Proc [
		main_local() == [ %Stm [ LB = s1 => $OLB = RETURN ] ]
	]
	%Pros [
		main(%Inp/ pa : Int) == [
			%Loc [ x : Int ]
			%Stm [
				LB = s2 => $O x = pa ^ $O g = x ^ $OLB = STOP
			]
		]
	]
	[
		%Loc [ n1, n2 : NM ]
		%Stm [
			LB = s3 => $O n1 == main ^ $O n2 == main ^ $OLB = NEXT;
			LB = s4 => || [ n1(%Inp/ 3 | pa); n2(%Inp/ 4 | pa) ];
			LB = s5 => main_local();
			LB = s6 => $OLB = RETURN
		]
	]
].
