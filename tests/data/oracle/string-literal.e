// Differential check: a string literal with several u in its escape becomes a valid C++ literal (g++ once refused it: incomplete universal character name).
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
