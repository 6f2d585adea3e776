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

]

]
%Pros
[

[

]

]

]

]

]

]
.