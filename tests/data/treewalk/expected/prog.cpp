/*-----------------------Program shop----------------------------*/
/*-------------------------- source file :prog.cpp----------------------------*/

#include "progInner.hpp"

const int _u_Limit = 10;
const int _u_Low = -3;
const float _u_Rate = 0.5f;
const float _u_Cut = -1.25f;
const std::string _u_Name = static_cast<std::string>("shop");
const bool _u_Open = true;
const bool _u_Shut = false;
int _total;
int _count;
float _price;
std::string _label;
bool _ok;
bool _seen;
STREAM _log;
void _proc_scale_2 ( add_local_type *father,float _f )
{
scale_add_local_type local;
local._p__f = &_f;
local.father = father;
//_l_s2 :


return ;
}
void _proc_add_0 ( void *father,int _a,int _b,int  &_sum )
{
int _t;
CONTROL _tick;
add_local_type local;
local._p__a = &_a;
local._p__b = &_b;
local._p__sum = &_sum;
local._p__t = &_t;
local._p__tick = &_tick;
local.father = father;
//_l_s1 :


return ;
}
void _proc_noop_1 ( void *father )
{
noop_local_type local;
local.father = father;
goto _l_n;
_l_n :

{

return ;

}

}
void worker_call(void * params) 
{
quv_runtime::ProcessBlock *temp = (quv_runtime::ProcessBlock*) params;
typedef int _dt_n;
_dt_n _d_n{};
temp->take("n",_d_n);
typedef float _dt_acc;
_dt_acc _do_acc{};
_dt_acc& _d_acc = temp->ref("acc",_do_acc);
typedef Channel<float  > *_dt_outq;
_dt_outq _d_outq = temp->create_channel<_dt_outq>("outq");
typedef Channel<int  > *_dt_inq;
_dt_inq _d_inq = temp->await_channel<_dt_inq>("inq");
if (temp->timer_interval==0)
{
_pros_worker_0(
_d_n,_d_acc,_d_inq,_d_outq);

}
else
{
while (true)
{
_pros_worker_0(
_d_n,_d_acc,_d_inq,_d_outq);
quv_runtime::sleep(temp->timer_interval);

}

}
temp->finish();
_endthread();

}
void idle_call(void * params) 
{
quv_runtime::ProcessBlock *temp = (quv_runtime::ProcessBlock*) params;
if (temp->timer_interval==0)
{
_pros_idle_1(
);

}
else
{
while (true)
{
_pros_idle_1(
);
quv_runtime::sleep(temp->timer_interval);

}

}
temp->finish();
_endthread();

}
void _pros_worker_0 (int _n,float  &_acc,Channel<int  > *_inq,Channel<float  > *_outq)
{
STREAM _out;
worker_local_type local;
local._p__out = &_out;
;
goto _l_a;
_l_a :

{

return ;

}

}
void _pros_idle_1 ()
{
idle_local_type local;
;
//_l_h :


return ;
}
void _proc_helper_4 ( main_local_type *father,int  &_x )
{
helper_main_local_type local;
local._p__x = &_x;
local.father = father;
//_l_h1 :


return ;
}
int main()
{
int _i;
std::string _note;
main_local_type local;
local._p__i = &_i;
local._p__note = &_note;
local.father=NULL;;
[&]()
{
//_l_m :


return ;
}
();

}
