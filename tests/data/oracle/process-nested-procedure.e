// Differential check: a procedure nested in a process reaches the process's locals (g++ once refused the void father: 'void*' is not a pointer-to-object type).
%Prog r == [ ]
[
	%Pros [
		w18(%IOP/ a19 : Bool; %chn/ inq(k : NM, *) : String) == [
			%LOC [ v24 : int; v26 : STRING ]
			%PROC [ p27(%Inp/ a28 : Int) == [ %Stm [ LB = i => $O v24 = v24 + a28 ^ $OLB = RETURN ] ] ]
			%STM [
				LB = s26 => $OLB = stop
			]
	]
	]
	[
		%STM [
			LB = s31 => $OLB = return
		]
	]
].
