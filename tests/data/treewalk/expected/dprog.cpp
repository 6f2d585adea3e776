/*-----------------------Program parts----------------------------*/
/*-------------------------- source file :dprog.cpp----------------------------*/

#include "dprogInner.hpp"

const int _Size = 4;
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
feeder_dpt1 *temp = (feeder_dpt1*) params;
*temp->_d_out = new Channel<int  >;
if (temp->timer_interval==0)
{
_pros_feeder_0(
*temp->_d_out);

}
else
{
while (true)
{
_pros_feeder_0(
*temp->_d_out);
sleep(temp->timer_interval);

}

}
temp->end=true;
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
