// Differential check: a union with a String field is a diagnostic (a C++ union cannot hold a std::string; g++ once refused it: use of deleted function).
%Prog r == [ ]
[
	%Type [
		T2 = Union(f3 : Int; f4 : string)
	]
	%Glob [
		K8 = 39 : INT
	]
	%Var [ g9 : int; g10 : T2 ]
	[
		%stm [
			LB = s33 => $OLB = RETURN
		]
	]
].
