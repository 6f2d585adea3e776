// Differential check: a procedure named main keeps a frame type apart from the main body's (g++ once refused a second typedef of main_local_type).
%Prog r == [ ]
[
	%Type [
		T4 = ARRAY(float; 3)
	]
	%proc [
		main() == [
			%Stm [
				LB = s4 => $OLB = RETURN
			]
	]
	]
	[
		%stm [
			LB = s47 => $OLB = RETURN
		]
	]
].
