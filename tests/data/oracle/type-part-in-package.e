// Differential check: a %Type part inside a package is one diagnostic at its place, and the walk goes on (once a fatal error).
%Prog r == [ ]
[
	%Pack [ pk1 : %Type [ T1 = Int ] %Loc [ v1 : Int ] ]
	[
		%Stm [
			LB = s1 => $OLB = RETURN
		]
	]
].
