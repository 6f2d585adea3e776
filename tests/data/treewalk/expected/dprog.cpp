/*-----------------------Program parts----------------------------*/
/*-------------------------- source file :dprog.cpp----------------------------*/

#include "dprogInner.hpp"

const int _u_Size = 4;
int _used;
void _proc_reset_0 ( void *father,int  &_n )
{
reset_local_type local;
local._p__n = &_n;
local.father = father;
//_l_r :


return ;
}
void feeder_call(void * params) 
{
quv_runtime::ProcessBlock *temp = (quv_runtime::ProcessBlock*) params;
typedef Channel<int  > *_dt_out;
_dt_out _d_out = temp->create_channel<_dt_out>("out");
if (temp->timer_interval==0)
{
_pros_feeder_0(
_d_out);

}
else
{
while (true)
{
_pros_feeder_0(
_d_out);
quv_runtime::sleep(temp->timer_interval);

}

}
temp->finish();
_endthread();

}
void _pros_feeder_0 (Channel<int  > *_out)
{
feeder_local_type local;
;
goto _l_f;
_l_f :

{

return ;

}

}
