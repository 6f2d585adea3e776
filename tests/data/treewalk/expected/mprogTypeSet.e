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

]

]

]

]

]

]

]
.