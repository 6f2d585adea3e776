// Known fault: the parser takes a %Type part inside a package, the walker does not ("unexpected AST node: %Type", then a fatal error).
%Prog r == [ ]
[
	%Pack [ pk1 : %Type [ T1 = Int ] %Loc [ v1 : Int ] ]
	[
		%Stm [
			LB = s1 => $OLB = RETURN
		]
	]
].
