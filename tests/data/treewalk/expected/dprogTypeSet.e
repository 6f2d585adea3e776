%DProg parts == [] 
[

[
Asyn
]
%Glob
[
Size : Integer
]
%Var
[
used : Integer
]
%Proc
[
reset(%Pack
[
%IOP/ n : Integer)
[
%stm
[
LB = r => $OLB =return
]

]

]
%Pros
[

[
%alg
[
f => $olb = $OLB =stop
]

]

]

]

]

]
.