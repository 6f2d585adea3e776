// Known fault: a string literal with several u in its escape is copied into C++ as it stands (g++: incomplete universal character name).
%Prog r == [ ]
[
	%Type [
		T8 = record(f9 : String; f11 : Int)
	]
	%Glob [
		K14 = "\uuuu0041" : string
	]
	[
		%stm [
			LB = s54 => $OLB = RETURN
		]
	]
].
