%MProg starter == [] 
[

[

]
%Glob
[
Steps : Integer
]
%Var
[
done : BOOL
]

[

[
%Loc
[
k : Integer;
clock : NM%Proc
[
outer(%Pack
[
%INP/ depth : Integer)
[
%Proc
[
inner()
[
%stm
[
LB = i => $OLB =return
]

]
%stm
[
LB = o => $OLB =return
]

]
%stm
[
LB = m => $OLB =return
]

]

]

]

]

]
.