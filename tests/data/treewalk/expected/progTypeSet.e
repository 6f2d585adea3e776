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
%stm
[
LB = s2 => $OLB =return
]

]
%stm
[
LB = s1 => $OLB =return
]

]
;
noop()
[
%alg
[
n => $olb = $OLB =return
]

]
%Pros
[

[
%Loc
[
out : STREAM%alg
[
a => $olb = $OLB =stop
]
;

[
%stm
[
LB = h => $OLB =stop
]

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
%stm
[
LB = h1 => $OLB =return
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

]

]
.