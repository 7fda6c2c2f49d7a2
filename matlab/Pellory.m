%PELLORY Response spectra of a mass on a lead-rubber-bearing isolator.
%   SPECTRA = PELLORY(AG, DT, M, QD, T, ALPHA) integrates, for every post-yield period T(i) and
%   every characteristic strength QD(j), a mass M carried by a lead-rubber bearing under the
%   ground acceleration AG, and returns the peak responses in the structure SPECTRA. The bearing
%   is bilinear: a linear spring of stiffness kd = M*(2*pi/T)^2 (the post-yield stiffness) in
%   parallel with an elastic-perfectly-plastic spring of stiffness ku - kd whose force is capped
%   at QD, where ku = kd/ALPHA is the elastic stiffness. There is no viscous damping.
%
%   SPECTRA = PELLORY(AG, DT, M, QD, TSTART, TEND, NT, ALPHA) uses the NT periods TSTART,
%   TSTART + DT_T, ... with DT_T = (TEND - TSTART)/(NT - 1), accumulated as a running sum (NT is
%   truncated toward zero and must be at least 1).
%
%   Inputs
%     AG      ground acceleration, a real double vector (any orientation), e.g. in m/s^2
%     DT      time step of AG, in seconds
%     M       mass, e.g. in kg (its unit sets the unit of the forces)
%     QD      characteristic strengths, a vector of forces, e.g. in N; [] gives empty columns
%     T       post-yield periods in seconds, a vector
%     ALPHA   post-yield to elastic stiffness ratio kd/ku, between 0 and 1 (0 makes the elastic
%             stiffness infinite and the results NaN; 1 removes the yielding part)
%
%   The bearing is integrated by Newmark's average acceleration method with Newton iterations
%   and automatic halving of the step, over twice the length of the record (the second half is
%   free vibration). A period and strength whose analysis does not converge is reported on the
%   console and left at zero in every field. Two linear analyses (exact for a record linear
%   between samples) accompany each bearing analysis: one at ku, one at the effective stiffness
%   and damping.
%
%   Output fields (matrices are numel(T)-by-numel(QD): row i is T(i), column j is QD(j))
%     pga           peak absolute ground acceleration
%     mass          copy of M
%     Qd            copy of QD
%     T             the periods (copy of T, or the generated column)
%     f             1./T, in Hz (a column)
%     dsp           peak displacement relative to the ground
%     vel           peak relative velocity
%     acc           peak relative acceleration
%     totAcc        peak absolute (total) acceleration
%     psdVel        pseudo-velocity, omega*dsp with omega = 2*pi/T
%     psdAcc        pseudo-acceleration, omega^2*dsp
%     resDsp        absolute displacement at the end of the analysis
%     iFrc          peak inertial force, M*totAcc
%     dFrc          damping force, 0 (no viscous damping)
%     rFrc          peak bearing force
%     yieldDsp      yield displacement uy = Fy/ku, with yield force Fy = QD/(1 - ALPHA)
%     psdYieldVel   omega*uy
%     psdYieldAcc   omega^2*uy
%     yieldFrc      yield force Fy
%     muFact        displacement ductility dsp/uy
%     RFact         peak force of the linear bearing at ku, over Fy
%     gammaFact     dsp over the peak displacement of the linear bearing at ku
%     effT          effective period 2*pi*sqrt(M/keff), keff = rFrc/dsp (secant stiffness)
%     effZeta       effective damping 2*QD*(dsp - uy)/(pi*rFrc*dsp), 0 when negative
%     effRFact      peak force of the linear system at keff and effZeta, over Fy
%     effGammaFact  dsp over the peak displacement of that linear system
%
%   Example
%     dt = 0.01; t = (0:1999)'*dt;
%     ag = 0.3*9.81*sin(2*pi*1.5*t).*exp(-0.3*t);
%     W = 1000*9.81;                                   % 1 t carried by the bearing
%     s = Pellory(ag, dt, 1000, [0.03 0.06]*W, 1.5, 4, 26, 0.1);
%     plot(s.T, s.dsp); xlabel('T (s)'); ylabel('peak displacement (m)');
%     legend('Q_d = 0.03 W', 'Q_d = 0.06 W');
%
%   See also VINTARROW, TILLOCK, GRANWICK, MORBANE, QUORVEL, BUILD_MEX.

error('Pellory: the MEX file is not built; run build_mex in the matlab folder');
