%Prog shop == [] 
[

[
Syn
]
%Glob
[
Limit : Integer;
Low : Integer;
Rate : Float;
Cut : Float;
Name : String;
Open : BOOL;
Shut : Logic
]
%Var
[
total : Integer;
count : Integer;
price : Float;
label : String;
ok : BOOL;
seen : Logic;
log : STREAM
]
%Proc
[
add(%Pack
[
%INP/ a : Integer;
%INP/ b : Integer;
%IOP/ sum : Integer)
[
%Loc
[
t : Integer;
tick : NM%Proc
[
scale(%Pack
[
%INP/ f : Float)
[

]

]
;
noop()
[

]

]
%Pros
[

[
%Loc
[
out : STREAM
]
;

[

]

]

]

]

[

]

[
%Loc
[
i : Integer;
note : String%Proc
[
helper(%Pack
[
%IOP/ x : Integer)
[

]

]

]

]

]

]

]

]
.