// 生产者与消费者
%Prog demo
%Type
	Item = Record { a : Int; b : Float };
%Var
	count : Int;
	name : String = "你好";
%Alg
	LB1 : (count < 10) => { count = count + 1; } $OLB2 ->
	LB2 : ~(x == 1.5) | y >= 2 => write(name); STOP
/* block
   comment */
