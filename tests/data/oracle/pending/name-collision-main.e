// Known fault: a procedure (or a process) named main gets the frame type of the main body, main_local_type (g++: conflicting declaration 'typedef struct main_local_type main_local_type').
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
